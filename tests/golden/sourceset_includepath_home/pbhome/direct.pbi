Procedure Direct()
EndProcedure
