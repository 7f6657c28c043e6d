--! stdout: chunk ran
-- A file without a state function only runs its chunk; the program ends
-- normally.
print("chunk ran")
