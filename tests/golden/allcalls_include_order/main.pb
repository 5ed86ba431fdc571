XIncludeFile "early.pbi"

Procedure Foo()
EndProcedure
Procedure Bar()
EndProcedure
XIncludeFile "late.pbi"
