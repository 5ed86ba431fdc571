Procedure WrongY()
EndProcedure
