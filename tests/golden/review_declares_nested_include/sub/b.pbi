; included by a.pbi on its line 1, so the compiler reads this
; before the definition of Helper on line 2 of a.pbi


Helper(0)
