Procedure H()
EndProcedure
