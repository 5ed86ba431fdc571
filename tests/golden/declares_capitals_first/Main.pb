XIncludeFile "lib.pb"
XIncludeFile "MyProcedures.pbi"
Run()
Procedure Run()
EndProcedure
