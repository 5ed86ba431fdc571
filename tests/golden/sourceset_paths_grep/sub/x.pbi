IncludeFile "deep/z.pbi"
IncludeFile #PB_Compiler_FilePath + "w.pbi"
IncludePath "inc/"
IncludeFile "y.pbi"
Procedure X()
EndProcedure
