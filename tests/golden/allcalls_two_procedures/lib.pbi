Procedure Helper(v)
  Debug v
EndProcedure
