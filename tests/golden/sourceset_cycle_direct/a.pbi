XIncludeFile "a.pbi"
Procedure A()
EndProcedure
