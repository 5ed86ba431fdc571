IncludeFile "c.pbi"
Procedure A()
EndProcedure
