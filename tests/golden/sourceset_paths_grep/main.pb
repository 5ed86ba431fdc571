IncludeFile "sub/x.pbi"
Procedure Main()
EndProcedure
