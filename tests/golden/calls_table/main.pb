Declare Foo(a)
Procedure Foo(x)
  ProcedureReturn x * 2
EndProcedure

Procedure Bar(a = Foo(1))
  y = Foo(1)
  z = foo(3)
  x = MyFoo(1)
  ; Foo(1)
  x = 1 ; Foo(1)
EndProcedure : Foo(1)
ProcedureC Foo(x)
EndProcedure
Foo (2)
Foo(1) : Foo(2)
x = Bar (Foo (1))
