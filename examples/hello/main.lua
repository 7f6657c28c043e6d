-- The bundled example: filled in as the script interfaces arrive.
print("Hello from Halvane")
