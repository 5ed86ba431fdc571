IncludeFile "mid.pbi"
IncludeFile "last.pbi"
Foo(1)
