Procedure D()
EndProcedure
