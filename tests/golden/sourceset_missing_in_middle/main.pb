IncludeFile "a.pbi"
IncludeFile "missing.pbi"
IncludeFile "b.pbi"
Procedure Main()
EndProcedure
