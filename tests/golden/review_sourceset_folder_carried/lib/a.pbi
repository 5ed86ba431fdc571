IncludePath "inc/"
IncludeFile "d.pbi"
Procedure A()
EndProcedure
