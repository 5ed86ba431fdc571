Procedure Last()
EndProcedure
Procedure Last2()
EndProcedure
