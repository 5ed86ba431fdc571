IncludeFile "gone.pbi"
IncludeFile "last.pbi"
Foo(1)
