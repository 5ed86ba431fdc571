Procedure SameUpper()
EndProcedure
