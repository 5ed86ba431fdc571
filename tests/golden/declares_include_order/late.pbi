Bar()
