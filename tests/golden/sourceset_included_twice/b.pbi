Procedure.i B()
EndProcedure
