"""Velkaro's pictures, drawn in code: shared drawing helpers and one module per picture."""
