IncludePath "inc/"
IncludeFile "y.pbi"
Procedure X()
EndProcedure
