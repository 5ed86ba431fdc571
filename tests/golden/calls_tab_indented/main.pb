	Foo(1)
 	 Procedure Bar(a)
		y = Foo (2)
	  	If Foo(3) : EndIf
 	 EndProcedure
	 	z = Foo(4)
	; Foo(5)
