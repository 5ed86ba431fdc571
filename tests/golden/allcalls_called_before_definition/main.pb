foo(1)

Procedure Foo(a)
  ProcedureReturn a
EndProcedure
x = Foo(2)
