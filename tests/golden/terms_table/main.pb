Procedure Foo(x)
  Protected foo
  x = Foo + 1
  Define Foo
  *Foo\x = 1
  p = @Foo
  Debug "Foo"
  ; Foo
  x = 1 ; Foo
  x = Foo : y = Foo
  FooBar = 1
EndProcedure ; Foo
Global Foo.i
Protected Foo
Define Foo
