IncludeFile "./a.pbi"
IncludeFile "../main.pb"
Procedure B()
EndProcedure
