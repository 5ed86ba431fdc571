ProcedureCount()
Exported()
Procedure ProcedureCount()
  ProcedureReturn 0
EndProcedure
ProcedureDLL Exported()
EndProcedure
