x = 1 : IncludeFile "a.pbi"
If FindString(x$, "XIncludeFile") : EndIf
#KEYWORD_IncludePath = 5
s$ = "IncludeFile b.pbi" : t$ = ": IncludeFile b.pbi"
Debug "x" : XIncludeFile "c.pbi" ; : IncludeFile "b.pbi"
IncludePath "inc/" : XIncludeFile "e.pbi"
IncludePath "" :IncludeFile "f.pbi"
