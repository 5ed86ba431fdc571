IncludeFile "a.pbi"
IncludeFile "b.pbi"
