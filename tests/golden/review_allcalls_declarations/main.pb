Early(1)
DeclareDLL.i Early(a)
Declare Later(a)
Later(1) : x = later(2)
DeclareC Cee(a)
Cee(1)
Declare Decl(a)
Procedure Early(a) ; first
EndProcedure
ProcedureDLL.i Later(a)
EndProcedure
ProcedureC Cee(a)
  Cee(2)
EndProcedure
Procedure Decl(a)
EndProcedure
Decl(1) : Decl(2)
