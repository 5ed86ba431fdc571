Procedure X()
EndProcedure
