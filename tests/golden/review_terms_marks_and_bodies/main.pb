Global Foo
*FooBar = Foo
ProcedureC Cb(Foo)
  Protected Foo
EndProcedure
Procedure.s Named(a)
  Static Foo.s = "Foo;x" ; Foo
  x = "a" + Foo + "b
  Foo$ = #Foo
EndProcedure
FOO\x = 1
IncludeFile "cr.pbi"
