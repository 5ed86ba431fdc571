Größe()
Zeta()
Alpha()
ProcedureCDLL Alpha()
EndProcedure
Procedure.d Größe()
EndProcedure
Procedure Zeta()
EndProcedure
