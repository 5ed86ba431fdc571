Procedure Foo()
EndProcedure
Foo()
