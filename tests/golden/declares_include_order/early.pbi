; calls Foo before main.pb defines it






Foo()
