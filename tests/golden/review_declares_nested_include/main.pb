XIncludeFile "sub/a.pbi"
Procedure Start()
  Helper(1)
EndProcedure
Start()
