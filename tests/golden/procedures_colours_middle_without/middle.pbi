; Procedure Commented()
ProcedureReturn 1
Procedures = 3
