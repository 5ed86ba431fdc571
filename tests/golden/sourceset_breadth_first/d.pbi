

Procedure D()
EndProcedure
