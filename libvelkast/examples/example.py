import velkast
text = velkast.encrypt("password")  # "53877449c8ce5745eefc1ef26d760efa"
print(text, velkast.decrypt(text))  # velkast.Error (a ValueError) for what velkast-cli refuses
