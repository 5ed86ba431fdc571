IncludeFile "a.pbi"
IncludeFile "a.pbi"
