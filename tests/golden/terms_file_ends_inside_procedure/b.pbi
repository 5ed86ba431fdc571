Count = 0
Procedure Close()
EndProcedure
