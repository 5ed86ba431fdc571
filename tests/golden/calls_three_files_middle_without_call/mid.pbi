x = MyFoo(1)
; Foo(1)
