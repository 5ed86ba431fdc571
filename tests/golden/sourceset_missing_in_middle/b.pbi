IncludeFile "c.pbi"
Procedure B()
EndProcedure
