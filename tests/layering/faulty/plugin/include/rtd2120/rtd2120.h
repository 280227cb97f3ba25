// The public header: anyone may include it.
