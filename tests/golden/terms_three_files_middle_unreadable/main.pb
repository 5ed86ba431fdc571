IncludeFile "gone.pbi"
IncludeFile "last.pbi"
Global Limit = 3
x = Limit
