Procedure F()
EndProcedure
