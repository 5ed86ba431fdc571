Procedure B()
EndProcedure
IncludeFile "d.pbi"
