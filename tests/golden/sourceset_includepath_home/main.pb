IncludePath #PB_Compiler_Home + "Include/"
XIncludeFile "h.pbi"
XIncludeFile #PB_Compiler_Home + "direct.pbi"
Procedure Main()
EndProcedure
