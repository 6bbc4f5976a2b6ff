// placeholder until this library's first unit lands
