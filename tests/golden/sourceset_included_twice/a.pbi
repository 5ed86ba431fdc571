Procedure A()
EndProcedure
XIncludeFile "b.pbi"
