low()
Procedure low()
EndProcedure
