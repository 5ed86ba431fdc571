Procedure B()
EndProcedure
