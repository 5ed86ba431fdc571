 	 	Procedure Tick(n)
	  	Shared Ticks
		  Ticks + n
  	;Ticks
 	 EndProcedure
	 Ticks = 0
