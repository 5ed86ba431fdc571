IncludeFile "middle.pbi"
IncludeFile "last.pbi"
Procedure Main()
EndProcedure
