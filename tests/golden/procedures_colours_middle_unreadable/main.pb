IncludeFile "gone.pbi"
IncludeFile "last.pbi"
Procedure Main()
EndProcedure
