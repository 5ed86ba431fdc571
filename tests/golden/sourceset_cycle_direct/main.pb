Procedure Main()
EndProcedure
IncludeFile "main.pb"
IncludeFile "a.pbi"
