Procedure Unused()
  x = 1
EndProcedure
