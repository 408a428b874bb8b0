' The smallest console program: one line, then the closing key wait.
PRINT "Hello, world!"
