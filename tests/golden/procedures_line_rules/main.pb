Procedure Foo()
Procedure.i Foo2(a, b)
ProcedureC Foo3()
ProcedureDLL.s Foo4()
ProcedureReturn 5ProcedureReturn
Procedures = 3
Procedure
procedure Foo5()
   Procedure Foo6()
	Procedure Foo7()
; Procedure Foo8()
Procedure Foo9() ; the main loop
Declare Foo10()
EndProcedure
 	 ProcedureCDLL	Foo11()
ProcedureBrowserScroll.l = 0
IncludeFile "nul.pbi"