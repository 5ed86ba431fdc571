XIncludeFile "Util.pbi"
Grün(1)
Procedure Grün(a) ; Latin-9 source
EndProcedure
