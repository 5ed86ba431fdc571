XIncludeFile "b.pbi"
Procedure Helper(x)
EndProcedure
