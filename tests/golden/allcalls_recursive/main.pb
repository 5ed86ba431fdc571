Procedure Fact(n)
  If n > 1
    ProcedureReturn n * Fact(n - 1)
  EndIf
  ProcedureReturn 1
EndProcedure
