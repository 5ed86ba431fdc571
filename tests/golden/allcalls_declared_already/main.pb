Declare Foo(a)
Foo(1)
Procedure Foo(a)
EndProcedure
