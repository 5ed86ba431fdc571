Procedure WrongB()
EndProcedure
