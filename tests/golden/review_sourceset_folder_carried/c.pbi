XIncludeFile "e.pbi"
Procedure C()
EndProcedure
