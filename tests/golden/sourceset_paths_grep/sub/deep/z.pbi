Procedure Z()
EndProcedure
