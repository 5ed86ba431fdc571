

Procedure SameLower()
EndProcedure
