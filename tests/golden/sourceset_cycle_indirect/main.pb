IncludeFile "dir/a.pbi"
Procedure Main()
EndProcedure
