XIncludeFile "lib.pbi"
Zeta(1)
x = Alpha()
Procedure Zeta(a)
EndProcedure
Procedure.i Alpha()
EndProcedure
