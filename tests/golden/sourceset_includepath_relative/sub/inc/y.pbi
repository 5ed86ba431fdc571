Procedure Y()
EndProcedure
