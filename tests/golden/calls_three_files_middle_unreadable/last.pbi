Procedure Baz()
  Foo(2)
EndProcedure
foo(3)
