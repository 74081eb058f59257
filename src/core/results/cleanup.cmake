# The cleanup run: re-validation, the Trash, and its report.
