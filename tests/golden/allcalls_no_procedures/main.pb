x = 1
Debug x
