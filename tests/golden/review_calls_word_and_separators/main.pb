Bar(1)
Procedure Bar (a)
  If a > 0 : Bar (a - 1) : EndIf
EndProcedure
x =	Bar(2)
p\Bar(3)
*p = @Bar()
s$ = "(" : y = Bar(4) ; Bar (5)
IncludeFile "cr.pbi"
