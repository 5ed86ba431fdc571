Procedure Check(v)
  Static Limit
  ProcedureReturn v < Limit ; Limit
EndProcedure
