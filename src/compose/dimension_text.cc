// implemented with the composition
