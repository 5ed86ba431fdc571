IncludePath "inc/"
IncludeFile "a.pbi"
IncludePath ""
IncludeFile "a.pbi"
