Procedure WrongE()
EndProcedure
