ProcedureC Callback(x)
  ProcedureReturn x
EndProcedure
y = Callback(1)
