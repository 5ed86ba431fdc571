Setup(0)
Procedure Setup(x)
EndProcedure
