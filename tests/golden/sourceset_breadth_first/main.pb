XIncludeFile "a.pbi"
IncludeFile "b.pbi"
Procedure Main()
EndProcedure
